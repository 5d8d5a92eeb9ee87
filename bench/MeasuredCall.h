#pragma once

#include <functional>

// The one window a child process measures, in a function of its own so that
// callgrind can count its instructions alone (--toggle-collect).
class MeasuredCall
{
public:
    static double seconds(const std::function<void()> &work);
};
