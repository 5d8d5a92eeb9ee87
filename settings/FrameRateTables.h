#pragma once

#include <QVector>

#include <unordered_map>
#include <vector>

// Capture frame rates of the inertial device; position i is item i of the
// inertial form's frame-rate box.
extern const QVector<int> kUniFpsList;
// Capture frame rates of the hybrid device; position i is item i of the
// hybrid form's frame-rate box.
extern const QVector<int> kHybridFpsList;
// PC-timecode rates allowed for each capture frame rate, in offered order.
extern const std::unordered_map<int, std::vector<int>> kFpsTimecodeRates;
