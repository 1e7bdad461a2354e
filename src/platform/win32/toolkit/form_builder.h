#pragma once
// The form builder: a table of control rows (platform/form_spec.h) made into real child controls
// of a window, each at its client-pixel place, in the rows' order (their tab order).
#include <windows.h>

#include <string>
#include <vector>

#include "platform/form_spec.h"

namespace v5::win32 {

enum class FormFont {
    Program,  // "MS Sans Serif" 8 pt, the font of the program's own windows
    System,   // the system's font for windows (the tray programs' forms)
};

struct FormLook {
    FormFont font = FormFont::Program;
    // The controls start hidden: the window's own code shows those that belong on screen.
    bool startHidden = false;
};

// The program's fonts, made once and kept for the life of the process: the normal one, the larger
// one (notices, tips, script texts) and the bold heading.
enum class FontRole { Normal, Large, Heading };
HFONT ProgramFont(FontRole role = FontRole::Normal);

// Makes the controls of one table, row by row; when it goes, it puts the frames and the tabs beneath
// the controls they hold.
class FormBuilder {
public:
    FormBuilder(HWND parent, FormLook look = {});
    ~FormBuilder();
    FormBuilder(const FormBuilder&) = delete;
    FormBuilder& operator=(const FormBuilder&) = delete;

    // Makes one control: its window class and styles for its kind and flags, its font, its hint as
    // a tool tip, its icon, its list entry height. Null when the control could not be made.
    HWND add(const ControlSpec& row);

private:
    HWND parent_;
    FormLook look_;
    HINSTANCE instance_;
    HWND tooltips_ = nullptr;
    std::vector<HWND> frames_;
    HWND tabs_ = nullptr;
};

// The whole table at once (any range of rows that are ControlSpecs); the controls in the rows'
// order, null where one could not be made.
template <class Rows>
std::vector<HWND> BuildForm(HWND parent, const Rows& rows, FormLook look = {}) {
    FormBuilder builder(parent, look);
    std::vector<HWND> made;
    for (const ControlSpec& row : rows) made.push_back(builder.add(row));
    return made;
}

// A control's text and check mark; the setters leave a control alone that already shows the value,
// so that it neither flickers nor notifies its window.
std::string ControlText(HWND control);
void SetControlText(HWND control, const std::string& text);
bool IsChecked(HWND button);
void SetChecked(HWND button, bool checked);

}  // namespace v5::win32
