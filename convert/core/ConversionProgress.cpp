#include "convert/core/ConversionProgress.h"

#include <QLabel>
#include <QProgressBar>
#include <QString>
#include <climits>
#include <cmath>

#include "convert/core/ConversionState.h"

namespace velmora::progress {

namespace {
QProgressBar* bar() { return conversionState().ConvProgressBar.data(); }
QLabel* label() { return conversionState().ConvMsgLabel.data(); }
}  // namespace

void setMaximum(double maximum) {
    if (QProgressBar* b = bar()) {
        // A maximum such as n × 1.1 carries a binary fraction just above the whole number it stands for.
        const double m = std::ceil(maximum - 1e-9);
        b->setMinimum(0);
        b->setMaximum(m > INT_MAX ? INT_MAX : (m < 0 ? 0 : static_cast<int>(m)));
        b->setValue(0);
    }
}

void setValue(int v) {
    if (QProgressBar* b = bar()) b->setValue(v);
}

int value() {
    QProgressBar* b = bar();
    return b ? b->value() : 0;
}

int maximum() {
    QProgressBar* b = bar();
    return b ? b->maximum() : 0;
}

void step() {
    if (QProgressBar* b = bar())
        if (b->value() < b->maximum()) b->setValue(b->value() + 1);
}

void setMaximumInTenths(double maximum) { setMaximum(maximum * 10); }

void stepTenth() {
    if (QProgressBar* b = bar())
        if (b->value() + 1 < b->maximum()) b->setValue(b->value() + 1);
}

void fill() {
    if (QProgressBar* b = bar()) b->setValue(b->maximum());
}

void setCaption(const std::string& utf8) {
    if (QLabel* l = label()) l->setText(QString::fromStdString(utf8));
}

void setVisible(bool visible) {
    if (QProgressBar* b = bar()) b->setVisible(visible);
    if (QLabel* l = label()) l->setVisible(visible);
}

}  // namespace velmora::progress
