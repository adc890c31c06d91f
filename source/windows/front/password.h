#pragma once
#include "windows/front/accountform.h"

// The dialog that changes an account's password: the account, its password and the new one
// typed twice.
class Password : public AccountForm {
public:
    explicit Password(Core* core);

    void Build() override;
    void Submit() override;

    Input* accountInput = nullptr;
    Input* passwordInput = nullptr;
    Input* newInput = nullptr;
    Input* repeatInput = nullptr;
};
