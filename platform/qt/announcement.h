#pragma once

// What an announced label says, for screen readers alone: a notification
// holding the news, shown to have it spoken and hidden when the label is
// emptied. Of an object without the focus, Orca presents a notification as it
// is shown, and no change of name or text. It has no size and takes no focus,
// so the window looks and works as it did.

#include <QWidget>

class QLabel;

namespace velunor::platform {

class Announcement : public QWidget {
public:
    explicit Announcement(QWidget* parent);

    // The label's caption after what the label is (its accessible description).
    void announce(const QLabel& label);

private:
    QLabel* news_;  // Orca speaks, and shows in braille, the labels a notification holds
};

}  // namespace velunor::platform
