#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "windows/front/settingspage.h"

class Input;

// A key-binding field of a page: the entry of Core::keys it edits, its place and its label.
struct BindingField {
    uint32_t keyIndex;
    int32_t x, y;
    const char* label = "";
};

// A page of key-capture inputs, one per binding, each showing the bound key's name. The keyboard
// handler binds the key pressed in the focused input; Tab walks the inputs. "default" restores the
// page's factory bindings; "ok" and Enter lead back to the Controls page, the close button and
// Escape only close. The page itself writes no file.
class BindingPage : public SettingsPage {
public:
    static constexpr int32_t InputWidth = 21;
    static constexpr int32_t InputHeight = 18;
    // A key name is at most 31 characters.
    static constexpr uint32_t NameLength = 31;
    // A label starts this far right of and below its input's corner.
    static constexpr int32_t LabelOffsetX = 35;
    static constexpr int32_t LabelOffsetY = 5;

    void OnOpen() override;
    void OnSubmit() override;
    void OnCommand(Button* button) override;

    // In display order, which is also the order of Tab.
    std::vector<Input*> inputs;

protected:
    BindingPage(Core* core, std::vector<BindingField> fields);

    // The page with its buttons and one input per field, in field order.
    void BuildBindings(std::string title, uint32_t type, int32_t w, int32_t h);

    // The fields' labels, right of their inputs.
    void PaintContent() override;

    std::vector<BindingField> fields;

private:
    void RestoreDefaults();
};
