// While the program itself fills a page's controls their handlers must not act (the device
// family's tool keeps a flag for this, param_bereit): every signal of a widget and of all its
// children is blocked for the lifetime of a Quiet.
#pragma once

#include <QObject>
#include <QSignalBlocker>

#include <vector>

namespace kalvo {

class Quiet {
  public:
    explicit Quiet(QObject* root) {
        const QList<QObject*> children = root->findChildren<QObject*>();
        blockers_.reserve(static_cast<std::size_t>(children.size()) + 1);
        blockers_.emplace_back(root);
        for (QObject* child : children) blockers_.emplace_back(child);
    }

  private:
    std::vector<QSignalBlocker> blockers_;
};

}  // namespace kalvo
