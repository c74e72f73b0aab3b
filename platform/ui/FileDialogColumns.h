#pragma once
// The detail view of Qt's own file dialog as a Japanese user reads it: sizes as "878 バイト" and
// "1,234 KB" (kilobytes rounded up, as the desktop shows them), times as "2026/12/11 00:48" and type names
// such as "フォルダー" or "CSV ファイル", whatever the locale. The name column comes first and gets the room
// the longest name of the folder needs; the other columns are as wide as what they hold, and the dialog
// opens wide enough for all of them and for the side panel's names.
#include <QDateTime>
#include <QString>

class QFileDialog;
class QFileInfo;

namespace velmora::ui {

QString japaneseFileSize(qint64 bytes);
QString japaneseFileTime(const QDateTime& time);
QString japaneseFileType(const QFileInfo& info);

// Puts the columns above into a dialog that is not shown yet.
void useJapaneseFileColumns(QFileDialog& dialog);

}  // namespace velmora::ui
