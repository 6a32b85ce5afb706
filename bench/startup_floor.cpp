// The floor for start-up measurements: the least a Qt Widgets program of the
// calculator's size does before its window is on screen. Its design names two
// faces, the desktop's and Arial 9 for the contact block, so the floor draws a
// line in each; Arial is named by its installed stand-in, as the window does.
#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QWidget>

namespace {

QString arialOrStandIn() {
    const QStringList installed = QFontDatabase::families();
    for (const QString& family :
         {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")}) {
        if (installed.contains(family, Qt::CaseInsensitive)) {
            return family;
        }
    }
    return QStringLiteral("Arial");
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(531, 313);
    auto* edit = new QLineEdit(QStringLiteral("55"), &window);
    edit->setGeometry(16, 8, 57, 19);
    auto* label = new QLabel(QStringLiteral("Urine creatinine, mg/dL"), &window);
    label->move(88, 11);
    auto* contact = new QLabel(QStringLiteral("14 Tindle Lane"), &window);
    contact->setFont(QFont(arialOrStandIn(), 9));
    contact->move(328, 131);
    auto* button = new QPushButton(QStringLiteral("Calculate"), &window);
    button->setGeometry(24, 264, 73, 25);
    window.show();
    return app.exec();
}
