#include "convert/core/ConversionProgress.h"

#include <QLabel>
#include <QProgressBar>
#include <QString>
#include <algorithm>
#include <climits>
#include <cmath>

#include "convert/core/ConversionState.h"

namespace velmora::progress {

namespace {
QProgressBar* bar() { return conversionState().ConvProgressBar.data(); }
QLabel* label() { return conversionState().ConvMsgLabel.data(); }

// Steps of a long loop reach the bar a thousandth of its length at a time: every setValue formats the
// bar's text and emits its signal, a cost per record as large as reading a short one, and the bar cannot
// show a finer step anyway. Whoever reads or sets the bar next sees every step taken.
int pendingSteps = 0;

void showPendingSteps(QProgressBar* b) {
    if (pendingSteps == 0) return;
    b->setValue(b->value() + pendingSteps);
    pendingSteps = 0;
}

QProgressBar* shownBar() {
    QProgressBar* b = bar();
    if (b) showPendingSteps(b);
    else pendingSteps = 0;
    return b;
}
}  // namespace

void setMaximum(double maximum) {
    pendingSteps = 0;
    if (QProgressBar* b = bar()) {
        // A maximum such as n × 1.1 carries a binary fraction just above the whole number it stands for.
        const double m = std::ceil(maximum - 1e-9);
        b->setMinimum(0);
        b->setMaximum(m > INT_MAX ? INT_MAX : (m < 0 ? 0 : static_cast<int>(m)));
        b->setValue(0);
    }
}

void setValue(int v) {
    if (QProgressBar* b = shownBar()) b->setValue(v);
}

int value() {
    QProgressBar* b = shownBar();
    return b ? b->value() : 0;
}

int maximum() {
    QProgressBar* b = shownBar();
    return b ? b->maximum() : 0;
}

void step() {
    QProgressBar* b = bar();
    if (!b || b->value() + pendingSteps >= b->maximum()) return;
    if (++pendingSteps >= std::max(1, b->maximum() / 1000)) showPendingSteps(b);
}

void setMaximumInTenths(double maximum) { setMaximum(maximum * 10); }

void stepTenth() {
    if (QProgressBar* b = shownBar())
        if (b->value() + 1 < b->maximum()) b->setValue(b->value() + 1);
}

void fill() {
    if (QProgressBar* b = shownBar()) b->setValue(b->maximum());
}

void setCaption(const std::string& utf8) {
    if (QLabel* l = label()) l->setText(QString::fromStdString(utf8));
}

void setVisible(bool visible) {
    if (QProgressBar* b = shownBar()) b->setVisible(visible);
    if (QLabel* l = label()) l->setVisible(visible);
}

}  // namespace velmora::progress
