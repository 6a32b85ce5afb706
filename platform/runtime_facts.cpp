#include "platform/runtime_facts.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QProxyStyle>
#include <QSysInfo>

#include "platform/qt/convert.h"

namespace velunor::platform {

namespace {

QString fromPath(const std::filesystem::path& path) {
    return QString::fromStdU16String(path.u16string());
}

// A Qt shipped with the program names the source it was built from; a system's
// Qt is the system's package, which the system's own tools name.
QString shippedQtSource() {
    const QString source = QStringLiteral(VELUNOR_QT_SOURCE);
    return source.isEmpty() ? source : QStringLiteral(" from Debian's ") + source;
}

// The style underneath the window's own picture handling.
QString styleName() {
    const QStyle* style = QApplication::style();
    if (const auto* proxy = qobject_cast<const QProxyStyle*>(style)) {
        style = proxy->baseStyle();
    }
    return style != nullptr ? style->name() : QStringLiteral("none");
}

}  // namespace

RuntimeFacts runtimeFacts() {
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale = QLocale::system();
    return {
        .programFile = QCoreApplication::applicationFilePath().toStdU16String(),
        .system = toStdString(QSysInfo::prettyProductName() + QStringLiteral("; kernel ") +
                              QSysInfo::kernelType() + u' ' + QSysInfo::kernelVersion() +
                              QStringLiteral("; ") + QSysInfo::currentCpuArchitecture()),
        .toolkit = toStdString(QStringLiteral("Qt ") + QString::fromLatin1(qVersion()) +
                               shippedQtSource() + QStringLiteral(" (platform ") +
                               QGuiApplication::platformName() + QStringLiteral(", style ") +
                               styleName() + u')'),
        .locale = toStdString(locale.name() + QStringLiteral(" (decimal separator '") +
                              locale.decimalPoint() + QStringLiteral("')")),
        .dateTime = toStdString(now.toOffsetFromUtc(now.offsetFromUtc()).toString(Qt::ISODate)),
    };
}

std::optional<std::string> sha256Hex(const std::filesystem::path& file) {
    QFile in(fromPath(file));
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!in.open(QIODevice::ReadOnly) || !hash.addData(&in)) {
        return std::nullopt;
    }
    return hash.result().toHex().toStdString();
}

}  // namespace velunor::platform
