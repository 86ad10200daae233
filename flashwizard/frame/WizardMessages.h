// The wizard's message boxes: the shared error and question boxes, plus the question whose
// default button is No (leaving a half-done update must not be one stray Enter away).
#pragma once

#include "seriallink/Messages.h"

namespace flashwizard {

class WizardMessages : public seriallink::MessageOwner {
public:
    virtual seriallink::MessageAnswer AskDefaultNo(
        const seriallink::MessageBoxRequest& request) = 0;
};

}  // namespace flashwizard
