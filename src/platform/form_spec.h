#pragma once
// A form described as data: one row per control, in tab order, at its place in client pixels.
// The Win32 toolkit's form builder turns a table of rows into real controls; portable models and
// their tests read the same rows.
#include <span>
#include <string_view>

namespace v5 {

enum class ControlKind {
    PageControl,  // the tabs; the pages' controls sit over its display area
    Button,
    GroupBox,     // a frame; a radio group is a GroupBox followed by its RadioButtons
    RadioButton,
    CheckBox,
    Edit,
    Memo,         // multi-line text box
    ListBox,
    ComboBox,     // a text box with a drop-down list of suggestions
    Label,        // one- or two-line static text; its access key focuses the next control
    Text,         // word-wrapped static text
    Notice,       // highlighted static text (red on yellow, sunken), in the larger font
    Heading,      // bold static text, centred on its height
    Image,        // an icon of the program's resources, named by the caption
    VersionLabel, // static text showing one version value
};

enum ControlFlags : unsigned {
    cfNone = 0,
    cfDefault = 1u << 0,     // marked as a default button
    cfCancel = 1u << 1,      // Esc presses it
    cfHidden = 1u << 2,      // never shown
    cfGroupStart = 1u << 3,  // first radio button of a group
    cfReadOnly = 1u << 4,
    cfCentred = 1u << 5,
    cfSorted = 1u << 6,      // the list keeps its entries sorted (its owner inserts in order)
    cfPassword = 1u << 7,    // an edit that shows its text as stars
    cfMultiSelect = 1u << 8, // a list where each click toggles an entry
    cfColumns = 1u << 9,     // a list whose entries hold tab-separated columns
    cfSunken = 1u << 10,     // an edit or a text drawn sunken into the form
    cfNoPrefix = 1u << 11,   // a text shown as it is: "&" marks no access key
    cfLargeText = 1u << 12,  // the larger font
};

// The identifier of a control that nothing asks for by identifier.
inline constexpr int kNoControlId = -1;

struct ControlSpec {
    ControlKind kind;
    const char* name;
    const char* caption;  // "&" marks the access key; an edit's text; an image's icon resource
    int x, y, width, height;
    int id = kNoControlId;
    unsigned flags = cfNone;
    const char* hint = "";  // shown as a tool tip
    // The properties window's page (-1: on the window itself), help topic (0: none of its own) and
    // the frame that holds the control ("" for none).
    int page = -1;
    int helpTopic = 0;
    const char* container = "";
    int itemHeight = 0;  // list boxes: pixels per entry, 0 for the default
};

// The row of a table with the given name, or identifier; null when there is none.
template <class Row>
const Row* RowNamed(std::span<const Row> rows, std::string_view name) {
    for (const Row& row : rows)
        if (name == row.name) return &row;
    return nullptr;
}
template <class Row>
const Row* RowWithId(std::span<const Row> rows, int id) {
    for (const Row& row : rows)
        if (row.id == id) return &row;
    return nullptr;
}

}  // namespace v5
