#pragma once
// The histogram of the worked example drawn by Qt Charts: the second
// baseline of the chart paint benchmark.
#include <memory>

class QPainter;

class QtChartsHistogram {
public:
    QtChartsHistogram();  // 400 x 250, five bars with value labels, axes, legend, title
    ~QtChartsHistogram();
    void Paint(QPainter& p);
private:
    struct Scene;
    std::unique_ptr<Scene> scene_;
};
