#pragma once
#include "windows/front/accountform.h"

// The dialog that links an account to Steam: the account name and password, sent after the
// Steam ticket. Without Steam it shows a hint instead of its link button, and Enter still
// connects.
class Link : public AccountForm {
public:
    explicit Link(Core* core);

    void Build() override;
    void Submit() override;

    Input* accountInput = nullptr;
    Input* passwordInput = nullptr;
};
