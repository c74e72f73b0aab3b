#pragma once
// Line breaking of a caption inside a given width, where a Japanese reader expects it.
#include <QStringList>

class QFontMetrics;
class QString;

namespace velmora::ui {

// The lines in which a caption is drawn within a width (pixels of the given font). Lines end at every
// "\n" of the caption; a line too wide breaks at its last blank run that fits (the blanks are not drawn:
// no line starts or ends with a blank), else before an opening bracket or after a middle dot or a comma
// ("・", "、"), else between two characters where
// Japanese allows it: never before a closing bracket, punctuation, a prolonged sound mark or a small kana,
// never after an opening bracket, never inside a run of Latin letters and digits. A piece that fits nowhere
// is cut where it must be, so every line fits unless a single character is wider than the width.
QStringList captionLines(const QString& caption, const QFontMetrics& metrics, int width);

}  // namespace velmora::ui
