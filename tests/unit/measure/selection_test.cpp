// The interface value selection: which boxes each connection type allows, what an
// activation shows and what OK stores.
#include "measure/selection.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/record_builder.h"

namespace kalvo {
namespace {

std::vector<int> usableBoxes(int connectionType) {
    std::vector<int> out;
    const auto usable = selectableBoxes(connectionType);
    for (int i = 0; i < kActivatedBoxes; ++i)
        if (usable[static_cast<std::size_t>(i)]) out.push_back(i);
    return out;
}

std::vector<int> range(int from, int to) {
    std::vector<int> out;
    for (int i = from; i <= to; ++i) out.push_back(i);
    return out;
}

TEST(Selection, UsableBoxesByConnectionType) {
    EXPECT_EQ(usableBoxes(FourWireUnbalanced), range(0, 34));
    EXPECT_EQ(usableBoxes(FourWireBalanced), range(0, 34));
    EXPECT_EQ(usableBoxes(ThreeWireUnbalanced), range(3, 34));  // no U1, U2, U3
    EXPECT_EQ(usableBoxes(ThreeWireBalanced), range(3, 34));
    EXPECT_EQ(usableBoxes(SinglePhase), (std::vector<int>{0, 6, 10, 14, 18, 22, 26, 30, 33, 34}));
    EXPECT_EQ(usableBoxes(7), range(0, 34));  // a type no record should hold: nothing barred
}

std::vector<int> checkedBoxes(const InterfaceBoxes& b) {
    std::vector<int> out;
    for (int i = 0; i < kInterfaceCells; ++i)
        if (b.checked[static_cast<std::size_t>(i)]) out.push_back(i);
    return out;
}

std::vector<int> setFlags(const Record& r) {
    std::vector<int> out;
    for (int i = 0; i < kInterfaceCells; ++i) {
        const Cell& c = r.Schnittstellenwerte[static_cast<std::size_t>(i)];
        EXPECT_TRUE(c.equals(0) || c.equals(1)) << i;
        if (c.equals(1)) out.push_back(i);
    }
    return out;
}

TEST(Selection, ActivationShowsTheUsableFlagsAndOkStoresEveryBox) {
    struct Case {
        int type;
        std::vector<int> flags;    // in the record
        std::vector<int> shown;    // checked after activation
        std::vector<int> clicked;  // toggled by the user before OK
        std::vector<int> stored;
    };
    const Case cases[] = {
        // Single-phase: U12 (3) is barred, shown cleared and stored as 0.
        {SinglePhase, {0, 3, 33}, {0, 33}, {}, {0, 33}},
        // Three-wire: U1..U3 are dropped by OK.
        {ThreeWireUnbalanced, {0, 1, 2, 9, 34}, {9, 34}, {10}, {9, 10, 34}},
        // Four-wire: everything as stored, a box cleared by the user.
        {FourWireUnbalanced, {0, 5, 21, 32}, {0, 5, 21, 32}, {5}, {0, 21, 32}},
        // U and I start from the record when the window is made and are never reloaded.
        {FourWireBalanced, {35, 36}, {35, 36}, {36}, {35}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        Record r = test::RecordBuilder().connection(c.type).flags(c.flags);
        InterfaceBoxes boxes = initialInterfaceBoxes(r);
        showInterfaceSelection(boxes, r);
        EXPECT_EQ(checkedBoxes(boxes), c.shown);
        for (int i : c.clicked) {
            const auto k = static_cast<std::size_t>(i);
            ASSERT_TRUE(boxes.enabled[k]);
            boxes.checked[k] = !boxes.checked[k];
        }
        storeInterfaceSelection(boxes, r);
        EXPECT_EQ(setFlags(r), c.stored);
    }
}

TEST(Selection, ActivationLeavesUAndIAloneAndTheResetClearsAll) {
    Record r = test::RecordBuilder().connection(ThreeWireUnbalanced).flags({9, 35});
    InterfaceBoxes boxes = initialInterfaceBoxes(r);
    EXPECT_EQ(checkedBoxes(boxes), (std::vector<int>{35}));
    boxes.checked[36] = true;
    // The record changes meanwhile (the parameter dialog's interface page): the next
    // activation shows it for 0..34 only.
    r = test::RecordBuilder().connection(SinglePhase).flags({0, 1, 36});
    showInterfaceSelection(boxes, r);
    EXPECT_EQ(checkedBoxes(boxes), (std::vector<int>{0, 35, 36}));
    EXPECT_FALSE(boxes.enabled[1]);
    EXPECT_TRUE(boxes.enabled[35] && boxes.enabled[36]);

    clearInterfaceSelection(boxes);
    EXPECT_TRUE(checkedBoxes(boxes).empty());
    storeInterfaceSelection(boxes, r);
    EXPECT_TRUE(setFlags(r).empty());
}

}  // namespace
}  // namespace kalvo
