#pragma once

// What an announced label says, for screen readers alone. Qt 6.8 passes an
// announcement on to every bridge itself (announcement_by_qt.cpp). Before it
// (announcement_by_hand.cpp), the news goes two ways: of an object without the
// focus, Orca presents a notification as it is shown, and no change of name or
// text, so a notification holding the news is shown, and hidden when the label
// is emptied; it has no size and takes no focus. Windows' bridge raises nothing
// for that, but turns a value change carrying text into the notification
// Narrator and NVDA speak: so the label itself, visible where the reader looks,
// sends one.

#include <QWidget>

#include <optional>

class QAccessibleEvent;
class QLabel;

namespace velunor::platform {

class Announcement : public QWidget {
public:
    explicit Announcement(QWidget* parent);

    // The label's caption after what the label is (its accessible description).
    void announce(QLabel& label);

private:
    QLabel* news_ = nullptr;  // by hand: the labels a notification holds, which Orca speaks
};

// The label's caption after what the label is: the words a reader is told.
QString announcedNews(const QLabel& label);

// What a screen reader's bridge is told by an accessibility event, if it is the
// announcement; for the window tests, which hold it against the news.
std::optional<QString> toldBy(const QAccessibleEvent& event);

// Whether a notification is shown to carry the news, as Orca before Qt 6.8 needs.
extern const bool kAnnouncedByNotification;

}  // namespace velunor::platform
