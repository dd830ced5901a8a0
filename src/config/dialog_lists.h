// The parameter dialog's fixed lists and its start state: nominal voltages and currents per
// hardware class, measuring places per connection type and quantity, base units, and the page
// list (which page a list index means).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/record.h"
#include "text/language.h"

namespace kalvo {

// ---- nominal values --------------------------------------------------------------------------

// An editable list of nominal values: the entries as shown and the one selected after filling.
struct NominalList {
    std::vector<std::string> entries;
    int selected = 0;
    bool operator==(const NominalList&) const = default;
};

// The nominal input voltages of a voltage class (600, 120 or 100 V), written with the user's
// decimal separator. The last 600 V entry is 300 x 1.73205080756888 with all its digits.
// nullopt for any other class: the list keeps the entries it has.
std::optional<NominalList> nominalVoltages(double Max_Spannung, char decimal);
// The nominal input currents of a current class (5, 1 or 1.2 A); nullopt for any other.
std::optional<NominalList> nominalCurrents(double Max_Strom, char decimal);

// ---- start state -----------------------------------------------------------------------------

// What Startzustand_setzen puts into the dialog's controls after every text routine: the
// record is not touched.
struct StartState {
    int frequencyOption = 1;  // "50 Hz"
    bool voltageTransformer = false;
    bool currentTransformer = false;
    std::vector<std::string> places{"L1"};  // both place lists, position 0 selected
    std::optional<NominalList> voltages;    // nullopt: keep the list
    std::optional<NominalList> currents;
    int page = 0;  // page list position, also Copy_par_list_index_Label
    int connectionType = 0;
    int analogQuantity = 0;
    int binaryQuantity = 0;
    int outputUnit = 0;
    std::string outputUnitLabel = "mA";  // the text of the output unit list at position 0
};
StartState Startzustand_setzen(const Record& record, char decimal);

// ---- measuring places and units --------------------------------------------------------------

// The place list of a quantity for a connection type (Messort_fuellen), the unit label that
// goes with it, and whether the "kap. ... ind." label below the range is shown (power factor
// and reactive factor, which have no unit). An empty list for a combination that has none.
struct PlaceList {
    std::vector<std::string_view> entries;
    std::string_view baseUnit;
    bool capInd = false;
};
PlaceList Messort_fuellen(int connectionType, int quantity);

// "V", "A", "W", "Var", "VA", "" (power factor, reactive factor), "°", "Hz", "V" (10 V DC
// input); "" outside 0..9.
std::string_view baseUnit(int quantity);

// ---- page list -------------------------------------------------------------------------------

enum class PageKind { Basic, Analog, Binary, Interface, None };

// What a page list index means: the basic page (0), analog output `row` (1..Anzahl_Analog),
// binary output `row` (then up to Anzahl_Analog + Anzahl_Binaer), the interface page (last).
struct PageRef {
    PageKind kind = PageKind::None;
    int row = -1;  // record row of an analog or binary output
    bool operator==(const PageRef&) const = default;
};

// Outputs the dialog offers: the variant's counts, limited to the record's rows.
int analogPages(const Record& record);
int binaryPages(const Record& record);
int pageCount(const Record& record);
PageRef pageAt(const Record& record, int index);

// The name of a page as its list entry shows it: "Grundeinstellungen", "Analogausgang 2",
// "Binärausgang 1", "Schnittstelle" (and the English and dialect words); "" for no page.
std::string pageText(PageRef page, Language language);
// The list entry at `index`; "" outside the list.
std::string pageListText(const Record& record, int index, Language language);

}  // namespace kalvo
