#include "WindowServices.h"

#include "Errors.h"

#include <QCoreApplication>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QProcess>
#include <QWidget>
#include <QWindow>

namespace Tovar {

namespace {

// Hides or shows a widget or window; other objects (or none) are left alone.
void setVisible(QObject *window, bool visible)
{
    if (auto *widget = qobject_cast<QWidget *>(window))
        widget->setVisible(visible);
    else if (auto *handle = qobject_cast<QWindow *>(window))
        handle->setVisible(visible);
}

} // namespace

QPixmap fileIcon(const QString &path, IconSize size)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return {};
    const int pixels = static_cast<int>(size);
    return QFileIconProvider().icon(info).pixmap(pixels, pixels);
}

void setTopMost(QObject *window, bool top)
{
    if (auto *widget = qobject_cast<QWidget *>(window)) {
        const bool noActivate = widget->testAttribute(Qt::WA_ShowWithoutActivating);
        widget->setAttribute(Qt::WA_ShowWithoutActivating, true);
        // Changing the flags hides a window; it is shown again at once.
        widget->setWindowFlag(Qt::WindowStaysOnTopHint, top);
        widget->show();
        widget->setAttribute(Qt::WA_ShowWithoutActivating, noActivate);
    } else if (auto *handle = qobject_cast<QWindow *>(window)) {
        handle->setFlag(Qt::WindowStaysOnTopHint, top);
        handle->show();
    } else {
        throw Errors::typeMismatch();
    }
}

void shellAndWait(QObject *window, const QString &programLine)
{
    const QStringList words = QProcess::splitCommand(programLine);
    QProcess process;
    if (!words.isEmpty())
        process.start(words.first(), words.mid(1));
    if (words.isEmpty() || !process.waitForStarted(-1))
        throw Error{static_cast<int>(0x8004012CU), QStringLiteral("Error starting task")};
    setVisible(window, false);
    QCoreApplication::processEvents();
    process.waitForFinished(-1);
    setVisible(window, true);
}

} // namespace Tovar
