// The parameter dialog's protocol over the record: a page is stored and checked when it is
// left, a change of the basic settings resets every output, OK stores the page on screen.
// The window only collects what its controls hold and shows what comes back.
#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "config/dialog_lists.h"
#include "config/pages.h"
#include "config/record.h"
#include "config/rules.h"
#include "text/language.h"

namespace kalvo {

// What the controls of one page hold.
using PageContent = std::variant<BasicPage, AnalogPage, BinaryPage, InterfacePage>;

// The page at a list index filled from the record (the basic page by P_in_index, an analog
// page by Analog_anzeigen ...); nullopt outside the list.
std::optional<PageContent> pageContent(const Record& record, int index, char decimal);

// Stores the page at `index` and checks it. `page` must be of the kind the index names
// (otherwise nothing is stored); an analog page's knee may move to its midpoint.
PageCheck Seite_speichern(Record& record, int index, PageContent& page, char decimal);

// The dialog's own state. It outlives one opening of the dialog: whoever opens the dialog keeps
// it, and a new project (the notice off) or an opened file (the notice on) sets its switch.
struct DialogFlags {
    bool Eingabefehler = false;        // the page last stored holds a fault
    bool Grund_geaendert = false;      // the basic settings differ from what the outputs
                                       // were set up for
    bool Ruecksetzmeldung_aus = true;  // reset the outputs without the notice
};

// What leaving a page (or pressing OK) decided.
struct Leave {
    PageCheck check;      // of the page left; its stop signs blink
    bool stay = false;    // a fault: the page stays selected and shown
    bool reset = false;   // Ausgaenge_zuruecksetzen ran
    bool notice = false;  // show the Meldung notice (the dialog waits for it)
};

// Leaving page `left` for another page (a click in the page list): leaving any page but the
// basic page turns the reset notice on; the page is stored and checked; if it is clean and the
// basic page on screen differs from the record as it was, every output is reset. `basic` is
// what the basic page's controls hold (they keep their values while other pages are shown).
// A faulty page is stored but resets nothing; the user stays on it, and leaving it clean later
// compares the corrected page with the record again.
Leave leavePage(Record& record, DialogFlags& flags, int left, const BasicPage& basic,
                PageContent& page, char decimal);

// OK accepts the page shown: it is stored and checked as on leaving it, but the reset notice is
// left as it is. `close` when the dialog may close: no fault, and no notice to show (after a
// notice the dialog stays open so the user sees the reset pages).
struct OkLeave : Leave {
    bool close = false;
};
OkLeave acceptPage(Record& record, DialogFlags& flags, int shown, const BasicPage& basic,
                   PageContent& page, char decimal);

// ---- checking a whole record -----------------------------------------------------------------

struct PageFault {
    int page = 0;      // page list index
    int stop = 0;      // stop sign 1..6
    CellFault cell{};  // a cell of the page that cannot be sent as it stands, or whose unit its
                       // quantity does not have; problem None for the page check's own faults
    bool operator==(const PageFault&) const = default;
};

// Runs every page's check on a copy of the record, as leaving each page in turn would, and
// lists the stop signs that would blink, page by page; then, on the page and stop sign of their
// field, the cells that cannot be sent as they stand and the units outside their quantity's
// list (cellFaults). A range or limit check that has no quantity to go by (its connection type,
// quantity or place does not exist) is left out.
std::vector<PageFault> checkRecord(const Record& record, char decimal);

// The page and stop sign of a cell's field: the connection type, frequency and voltages on the
// basic page with stop sign 1, the currents with 2; an analog output's quantity, place, unit and
// range with 3, its output signal and limitation with 4, its knee and kinked characteristic
// with 5; everything of a binary output with 6.
int pageOf(const Record& record, const CellFault& cell);
int stopSignOf(const CellFault& cell);
// What is wrong with the cell, naming its field: "Anschlussart 7 gibt es nicht".
std::string cellFaultText(const CellFault& cell, Language language);
// The page list entry of the cell's page: "Grundeinstellungen", "Analogausgang 2" ...
std::string cellPageText(const CellFault& cell, Language language);

// Why the stop sign is set, with the allowed values in the user's number format.
std::string faultText(const Record& record, const PageFault& fault, Language language,
                      char decimal);
// One line: the page's list entry, TAB, the stop sign number, TAB, faultText.
std::string faultLine(const Record& record, const PageFault& fault, Language language,
                      char decimal);
// checkRecord's faults as lines, in page order; empty for a clean record.
std::vector<std::string> faultLines(const Record& record, Language language, char decimal);
// checkRecord's faults for a message box, one per line: the page's list entry, a dash, and
// faultText ("Analogausgang 2 – Meßbereich: ..."); empty for a clean record.
std::string faultList(const Record& record, Language language, char decimal);

// ---- the diagram button ----------------------------------------------------------------------

// A window's outer rectangle (its frame included) on the screen, in pixels.
struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const ScreenRect&) const = default;
};

// `wanted` on the screen area `available`: no larger than the area, and moved back onto it
// where it sticks out.
ScreenRect keepOnScreen(ScreenRect wanted, ScreenRect available);

// The diagram button widens the dialog to `wanted` (the family's left edge and width, in
// pixels at the screen's resolution) to show the wiring picture, `picture` pixels wide, beside
// the rest of the dialog, which needs `rest` pixels. The dialog stays on `available`: at a
// large scaling it becomes as wide as the area, and the picture gets what the rest leaves.
struct DiagramPlace {
    ScreenRect dialog;
    int picture = 0;
    bool operator==(const DiagramPlace&) const = default;
};
DiagramPlace placeDiagram(ScreenRect wanted, int picture, int rest, ScreenRect available);

}  // namespace kalvo
