// The main window's design handlers as adapters of the core's DesignForm:
// copy the field texts, check boxes and control states in, run one command,
// copy what changed back out (texts, captions, colours, enabled states), then
// show the command's messages.
#pragma once

#include "core/design_form.h"
#include "rules/rules_memory.h"

#include <functional>

namespace tpworm {

class TForm1;

namespace documents {
struct DesignFileContent;
}

namespace calc {

using FormCommand = std::function<void(core::DesignForm& form, rules::RulesSource& rules)>;

// Runs command on the window's model with the window's per-use rules
// look-ups. Does nothing while the model's own writes are copied out.
void runFormCommand(TForm1& form, const FormCommand& command);

// The open command's restore of a design file's texts, as one command.
void restoreDesignFile(TForm1& form, const documents::DesignFileContent& content);

} // namespace calc
} // namespace tpworm
