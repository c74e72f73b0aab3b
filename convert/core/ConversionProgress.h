#pragma once
// The job dialog's progress display as converters drive it: the bar (ConvProgressBar) and the message
// label (ConvMsgLabel) of the conversion state. Either may be absent (a job without a dialog, a test):
// then the calls do nothing. None of them yields; the converters yield where their procedures say.
#include <string>

namespace velmora::progress {

// Maximum of the bar; a writer's n + n × 0.1 is kept whole by rounding up, so the bar never fills from
// the records alone. The value is set to 0.
void setMaximum(double maximum);
void setValue(int value);
int value();
int maximum();
// Adds 1 while the value is below the maximum.
void step();
// A bar that counts in tenths (the boundary-line writers): the maximum is given in units, each step is
// a tenth of one. The bar holds tenths, so a maximum of 1.1 is eleven steps of 0.1.
void setMaximumInTenths(double maximum);
// Adds a tenth when the new value stays below the maximum.
void stepTenth();
// Fills the bar.
void fill();
// Caption of the label (UTF-8).
void setCaption(const std::string& utf8);
// Shows or hides bar and label together.
void setVisible(bool visible);

}  // namespace velmora::progress
