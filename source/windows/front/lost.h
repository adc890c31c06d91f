#pragma once
#include "windows/front/accountform.h"

// The dialog that asks the server for help with a lost account, by e-mail address.
class Lost : public AccountForm {
public:
    explicit Lost(Core* core);

    void Build() override;
    void Submit() override;

    Input* mailInput = nullptr;
};
