#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// The tips of the day, in their fixed order.
namespace Tips {
const QStringList &texts();
}

// Chooses the next tip so that each is shown once before any repeats. The marks
// last for the run, across showings of the tips window; each showing starts with
// the first tip on display.
class TipCycle {
public:
    // A number of steps from 0 to count - 1.
    using RandomStep = std::function<int(int count)>;

    explicit TipCycle(int count);
    int count() const { return int(m_marks.size()); }
    bool isMarked(int tip) const { return m_marks[size_t(tip)]; }

    // The tip to show after `displayed` (on opening and on "next"): marks the
    // displayed tip, moves a random number of steps, then on to the first unmarked
    // tip, which is marked as shown. Once every tip has been shown the marks are
    // forgotten, and the new round never starts with the tip that is on display.
    int next(int displayed, const RandomStep &random);

    // The system's random numbers.
    static int randomStep(int count);
    // The cycle of this run of the program.
    static TipCycle &forRun();

private:
    std::vector<bool> m_marks;
};
