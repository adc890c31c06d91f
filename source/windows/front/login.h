#pragma once
#include "windows/front/accountform.h"

// The account-name-and-password login window; its submit connects with the login kind.
class Login : public AccountForm {
public:
    explicit Login(Core* core);

    void Build() override;
    void Submit() override;

    Input* accountInput = nullptr;
    Input* passwordInput = nullptr;
};
