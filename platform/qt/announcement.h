#pragma once

// What an announced label says, for screen readers alone, in the two ways
// their bridges pass it on. Of an object without the focus, Orca presents a
// notification as it is shown, and no change of name or text: so a
// notification holding the news is shown, and hidden when the label is
// emptied; it has no size and takes no focus. Windows' bridge raises nothing
// for that, but turns a value change carrying text into the notification
// Narrator and NVDA speak: so the label itself, visible where the reader
// looks, sends one.

#include <QWidget>

class QLabel;

namespace velunor::platform {

class Announcement : public QWidget {
public:
    explicit Announcement(QWidget* parent);

    // The label's caption after what the label is (its accessible description).
    void announce(QLabel& label);

private:
    QLabel* news_;  // Orca speaks, and shows in braille, the labels a notification holds
};

}  // namespace velunor::platform
