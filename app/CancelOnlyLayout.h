#pragma once
// The layout of a dialog that so far offers nothing but closing: its "キャンセル" button (cmdEnd) at the
// bottom right.
class QDialog;
class QPushButton;

namespace velmora {

QPushButton* addCancelOnlyLayout(QDialog& dialog);

}  // namespace velmora
