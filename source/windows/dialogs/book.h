#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "windows/toolkit/window.h"

// The title and paragraphs of one book as its record holds them.
struct BookText {
    std::string title;
    std::vector<std::string> paragraphs;
};

enum class BookLoad { Read, UnknownId, WrongKey };

// A book, scroll or letter the server opened: its texts are read from data/Veltor.books,
// deciphered with the key the server sent, and shown one page at a time.
class Book : public Window {
public:
    static constexpr uint32_t PreviousButton = 67;
    static constexpr uint32_t NextButton = 68;

    // Opens the book, or says in a message box why it cannot; the server's id and key are not
    // trusted.
    static void Open(Core* core, uint32_t bookId, const uint8_t key[16]);
    // Reads and deciphers the book's record. A missing books file ends the program.
    static BookLoad Load(Core* core, uint32_t bookId, const uint8_t key[16], BookText& text);

    Book(Core* core, BookText text);

    void Build() override;
    void Paint() override;
    void Draw() override;
    void OnSubmit() override;
    void Close() override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    void OnCommand(Button* button) override;

    // Wraps a page's text into pageLines.
    void WrapPage(const std::string& text);

    int32_t page = 0;
    std::vector<std::string> pages;
    std::vector<std::string> pageLines;
    uint8_t singlePage = 0;

private:
    void PaintContent();
    // Splits every paragraph that runs past one page in two, at its first line that does not fit.
    void Paginate();
    int32_t WrapWidth() const;
    // The largest offset of a line below the first that still fits on a page.
    int32_t PageDepth() const;
    void ShowPageButtons();
};
