// The comparison of two configuration records in the parameter dialog's words: which page,
// which field, and both values as the dialog shows them. It answers "what would programming
// change" (the tool against the unit) and "did the unit store what was sent".
#pragma once

#include <string>
#include <vector>

#include "config/record.h"
#include "text/language.h"

namespace kalvo {

struct RecordDifference {
    std::string page;       // as the dialog's page list names it: "Analogausgang 2"; for
                            // the variant/counts and basic settings its page's name
    std::string parameter;  // the dialog's caption of the field: "Meßbereich bis"
    std::string left;       // value as the dialog shows it, with unit: "400 V"; "" when
    std::string right;      //   the side has no such output / value
    bool operator==(const RecordDifference&) const = default;
};

// Differences of `right` against `left`, page by page in dialog order, in `language`,
// numbers in the user's format (`decimal`). Empty when the records mean the same.
std::vector<RecordDifference> compareRecords(const Record& left, const Record& right,
                                             Language language, char decimal);

// "page TAB parameter TAB left TAB right" per difference, for kalvo-cli and transcripts.
std::string differenceLine(const RecordDifference& d);

}  // namespace kalvo
