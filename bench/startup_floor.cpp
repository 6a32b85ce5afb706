// The floor for start-up measurements: the least a Qt Widgets program of the
// calculator's size does before its window is on screen.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(531, 313);
    auto* edit = new QLineEdit(QStringLiteral("55"), &window);
    edit->setGeometry(16, 8, 57, 19);
    auto* label = new QLabel(QStringLiteral("Urine creatinine, mg/dL"), &window);
    label->move(88, 11);
    auto* button = new QPushButton(QStringLiteral("Calculate"), &window);
    button->setGeometry(24, 264, 73, 25);
    window.show();
    return app.exec();
}
