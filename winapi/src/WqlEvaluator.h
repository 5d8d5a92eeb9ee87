#pragma once

#include "WqlQuery.h"

#include <winapi/WinapiSeam.h>

#include <vector>

// Decides whether a row meets a WHERE condition whose properties have been
// resolved to columns. Comparisons with NULL, and between values that cannot
// be converted to each other, are false.
class WqlEvaluator
{
public:
    static bool matches(const WqlCondition &condition, const std::vector<winapi_seam::Value> &row);

private:
    static bool compare(const winapi_seam::Value &value, WqlCondition::Op op,
                        const WqlLiteral &literal);
    static bool like(const winapi_seam::Value &value, const LikePattern &pattern);
};
