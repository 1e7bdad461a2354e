#include "shell/props_keyboard.h"

#include <cctype>
#include <span>

namespace v5 {
namespace {

using K = ControlKind;

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// The access key of a caption: the character after a single "&", lower case; 0 for none.
char AccessKeyOf(std::string_view caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] != '&') return Lower(caption[i + 1]);
        ++i;  // "&&" is an ampersand
    }
    return 0;
}

bool WantsCharacters(K kind) { return kind == K::Edit || kind == K::Memo || kind == K::ListBox; }

class Navigator {
public:
    explicit Navigator(const DialogKeyContext& context) : c_(context), controls_(PropsControls()) {}

    int indexOf(std::string_view name) const {
        for (std::size_t i = 0; i < controls_.size(); ++i)
            if (name == controls_[i].name) return static_cast<int>(i);
        return -1;
    }
    const ControlSpec* focused() const {
        const int i = indexOf(c_.focused);
        return i < 0 ? nullptr : &controls_[i];
    }
    bool available(const ControlSpec& control) const { return c_.available && c_.available(control); }
    bool checked(const ControlSpec& control) const { return c_.checked && c_.checked(control); }

    // The radio button that Tab stops at in a group: the selected one, else the first shown.
    const ControlSpec* groupEntry(std::string_view group) const {
        const ControlSpec* first = nullptr;
        for (const ControlSpec& r : controls_) {
            if (r.kind != K::RadioButton || group != r.container || !available(r)) continue;
            if (checked(r)) return &r;
            if (!first) first = &r;
        }
        return first;
    }

    bool tabStop(const ControlSpec& control) const {
        switch (control.kind) {
            case K::PageControl:
            case K::Button:
            case K::CheckBox:
            case K::Edit:
            case K::Memo:
            case K::ListBox: return available(control);
            case K::RadioButton: return groupEntry(control.container) == &control;
            default: return false;
        }
    }

    // The next (step 1) or previous (step -1) control after `from` that satisfies `wanted`,
    // going round the table; null when there is none.
    template <typename Wanted>
    const ControlSpec* walk(int from, int step, Wanted wanted) const {
        const int n = static_cast<int>(controls_.size());
        int i = from < 0 ? (step > 0 ? -1 : n) : from;
        for (int k = 0; k < n; ++k) {
            i = (i + step + n) % n;
            if (wanted(controls_[i])) return &controls_[i];
        }
        return nullptr;
    }

    KeyOutcome focus(const ControlSpec* control) const {
        return control ? KeyOutcome{KeyAction::Focus, control->name} : KeyOutcome{KeyAction::Ignore, {}};
    }

    KeyOutcome press(const char* name) const {
        const ControlSpec* control = FindControl(name);
        return control && available(*control) ? KeyOutcome{KeyAction::Press, name} : KeyOutcome{KeyAction::Ignore, {}};
    }

    KeyOutcome tab(int step) const {
        return focus(walk(indexOf(c_.focused), step, [&](const ControlSpec& x) { return tabStop(x); }));
    }

    KeyOutcome arrow(int step) const {
        const ControlSpec* at = focused();
        if (!at) return {};
        if (at->kind == K::RadioButton) {
            const ControlSpec* next = walk(indexOf(at->name), step, [&](const ControlSpec& x) {
                return x.kind == K::RadioButton && std::string_view(x.container) == at->container && available(x);
            });
            return next ? KeyOutcome{KeyAction::Press, next->name} : KeyOutcome{KeyAction::Ignore, {}};
        }
        // Buttons and check boxes stand alone here; lists, edits and the tabs use the arrows themselves.
        if (at->kind == K::Button || at->kind == K::CheckBox) return {KeyAction::Ignore, {}};
        return {};
    }

    KeyOutcome enter() const {
        const ControlSpec* at = focused();
        if (at && at->kind == K::Button && available(*at)) return {KeyAction::Press, at->name};
        // An address typed in the box is added, never taken for a confirmation of the window. The
        // add itself refuses blanks: keys typed quickly may come before the button shows the text.
        if (at && std::string_view(at->name) == "txtMailingListAddress")
            return {KeyAction::Press, "btnMailingListAddressAdd"};
        if (c_.activePage == pgRoutine) {
            const KeyOutcome run = press("btnRunRoutine");
            if (run.action == KeyAction::Press) return run;
        }
        return press("btnOk");
    }

    KeyOutcome accessKey(char letter, bool alt) const {
        const ControlSpec* at = focused();
        if (!alt && at && WantsCharacters(at->kind)) return {};
        const char wanted = Lower(letter);
        const int from = at ? indexOf(at->name) : -1;
        const ControlSpec* target = walk(from, 1, [&](const ControlSpec& x) {
            return x.kind != K::PageControl && AccessKeyOf(x.caption) == wanted && available(x);
        });
        if (!target) return {};
        switch (target->kind) {
            case K::Button:
            case K::CheckBox:
            case K::RadioButton: return {KeyAction::Press, target->name};
            case K::GroupBox:
                if (const ControlSpec* entry = groupEntry(target->name)) return focus(entry);
                [[fallthrough]];
            default:
                // A label or a frame names what follows it.
                return focus(walk(indexOf(target->name), 1, [&](const ControlSpec& x) { return tabStop(x); }));
        }
    }

private:
    const DialogKeyContext& c_;
    std::span<const PropsControl> controls_;
};

}  // namespace

KeyOutcome PropsDialogKey(DialogKey key, char letter, bool alt, const DialogKeyContext& context) {
    const Navigator nav(context);
    switch (key) {
        case DialogKey::Tab: return nav.tab(1);
        case DialogKey::ShiftTab: return nav.tab(-1);
        case DialogKey::Down:
        case DialogKey::Right: return nav.arrow(1);
        case DialogKey::Up:
        case DialogKey::Left: return nav.arrow(-1);
        case DialogKey::Enter: return nav.enter();
        case DialogKey::Escape: return nav.press("btnCancel");
        case DialogKey::Letter: return nav.accessKey(letter, alt);
    }
    return {};
}

}  // namespace v5
