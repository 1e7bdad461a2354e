#include "platform/message_dialog.h"

namespace v5 {

const char* DialogCaption(DialogKind kind) {
    switch (kind) {
        case DialogKind::Warning: return "Warning";
        case DialogKind::Error: return "Error";
        case DialogKind::Information: return "Information";
        case DialogKind::Confirmation: return "Confirm";
    }
    return "";
}

}  // namespace v5
