#pragma once
// The services that touch the desktop: file icons, a window kept on top, and a program run
// while the window waits hidden.

#include <QObject>
#include <QPixmap>
#include <QString>

namespace Tovar {

enum class IconSize { Small = 16, Big = 32 };
// The desktop's icon for a file or folder; a null pixmap when there is none.
QPixmap fileIcon(const QString &path, IconSize size);

// Keeps a QWidget or QWindow above the others (or no longer) and shows it without
// activating it. Anything else is a type mismatch.
void setTopMost(QObject *window, bool top);

// Starts the program line (split like a shell's words, no shell), hides the window, and
// waits for the program to end before showing it again. A program that cannot start raises
// "Error starting task" (0x8004012C) and leaves the window alone. The window may be null.
void shellAndWait(QObject *window, const QString &programLine);

} // namespace Tovar
