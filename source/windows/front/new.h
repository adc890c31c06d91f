#pragma once
#include "windows/front/accountform.h"

// The dialog that creates an account from a name and an e-mail address.
class New : public AccountForm {
public:
    explicit New(Core* core);

    void Build() override;
    void Submit() override;

    Input* accountInput = nullptr;
    Input* mailInput = nullptr;
};
