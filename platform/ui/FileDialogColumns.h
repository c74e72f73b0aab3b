#pragma once
// The detail columns of Qt's own file dialog as a Japanese user reads them: sizes as "878 バイト" and
// "1,234 KB" (kilobytes rounded up, as the desktop shows them), times as "2026/12/11 00:48", whatever the
// locale; and columns wide enough for what they hold, so none ends in "…".
#include <QDateTime>
#include <QString>

class QFileDialog;

namespace velmora::ui {

QString japaneseFileSize(qint64 bytes);
QString japaneseFileTime(const QDateTime& time);

// Puts the columns above into a dialog that is not shown yet.
void useJapaneseFileColumns(QFileDialog& dialog);

}  // namespace velmora::ui
