#include "settings/FrameRateTables.h"

const QVector<int> kUniFpsList{50, 60, 90, 96, 100, 120, 240};

const QVector<int> kHybridFpsList{60, 90, 96, 100, 120, 240};

// 200 is in neither device list: no choice of the user reaches it.
const std::unordered_map<int, std::vector<int>> kFpsTimecodeRates{
        {50, {25}},  {60, {30}},      {90, {30}},      {96, {24}},
        {100, {25}}, {120, {24, 30}}, {240, {24, 30}}, {200, {25}},
};
