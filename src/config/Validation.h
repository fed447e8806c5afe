#pragma once

#include "EditorSnapshot.h"
#include "TUstawienie.h"

#include <optional>

// The checks a configuration must pass before it is saved or written, and the
// copy of the editor into the record. Plain functions over a snapshot: the main
// window shows the message, makes the correction and moves the focus.
namespace Validation {

enum class Field {
    None, // the focus stays where it is
    EditPin,
    EditCentrum,
    edtAccessCode,
    edtMeterPwd,
    EditDzien,
    FlatEditGodzina,
    FlatEditMinuta,
    EditKsiazka, // of `row`
    CheckBoxC,   // of `row`
};

struct Issue {
    QString message;
    // The day question: Yes lets the configuration through, No fails it.
    bool question = false;
    Field focus = Field::None;
    int row = 0; // 1-based, for the phone-book fields
    // A text the field at `corrected` is given (emptied, "23", "59", "00").
    std::optional<QString> correction;
    Field corrected = Field::None;
};

// A meter password character the serial line carries (seven bits) and the
// module's answer keeps (it ends at the first ")"; "]" ends a write): 32 to 126
// but those two.
bool carriedInPassword(char16_t code);

// The first rule the editor fails, in the fixed order; nothing when all pass.
std::optional<Issue> firstIssue(const EditorSnapshot &editor, const ModuleTraits &module);

// What a fresh editor shows of a record for a module, and so what storing reads
// back from it: rows above the module's book, and L and AllNumbers where the
// module has no extended book, are empty. The window without its widgets.
EditorSnapshot shown(const TUstawienie &record, const ModuleTraits &module);

// Copies the editor into the record. Rows above the module's book, and L and
// AllNumbers on modules without the extended book, keep what the record held.
void store(const EditorSnapshot &editor, const ModuleTraits &module, TUstawienie &record);

} // namespace Validation
