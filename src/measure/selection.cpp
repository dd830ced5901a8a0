#include "measure/selection.h"

#include "config/rules.h"

namespace kalvo {

namespace {

bool flagSet(const Cell& cell) {
    return cell.equals(1);
}

}  // namespace

std::array<bool, kActivatedBoxes> selectableBoxes(int connectionType) {
    std::array<bool, kActivatedBoxes> usable{};
    usable.fill(true);
    switch (connectionType) {
        case ThreeWireUnbalanced:
        case ThreeWireBalanced:
            for (int i : {0, 1, 2}) usable[static_cast<std::size_t>(i)] = false;
            break;
        case SinglePhase:
            usable.fill(false);
            for (int i : {0, 6, 10, 14, 18, 22, 26, 30, 33, 34}) {
                usable[static_cast<std::size_t>(i)] = true;
            }
            break;
        default:
            break;
    }
    return usable;
}

InterfaceBoxes initialInterfaceBoxes(const Record& record) {
    InterfaceBoxes boxes;
    boxes.enabled.fill(true);
    for (std::size_t i = kActivatedBoxes; i < kInterfaceCells; ++i) {
        boxes.checked[i] = flagSet(record.Schnittstellenwerte[i]);
    }
    return boxes;
}

void showInterfaceSelection(InterfaceBoxes& boxes, const Record& record) {
    const auto usable = selectableBoxes(connectionType(record));
    for (std::size_t i = 0; i < kActivatedBoxes; ++i) {
        boxes.enabled[i] = usable[i];
        boxes.checked[i] = usable[i] && flagSet(record.Schnittstellenwerte[i]);
    }
}

void storeInterfaceSelection(const InterfaceBoxes& boxes, Record& record) {
    for (std::size_t i = 0; i < kInterfaceCells; ++i) {
        record.Schnittstellenwerte[i] = Cell(boxes.checked[i] ? 1 : 0);
    }
}

void clearInterfaceSelection(InterfaceBoxes& boxes) {
    boxes.checked.fill(false);
}

}  // namespace kalvo
