#pragma once
// The failure points of one sweep: what each one led to, and the ones that broke a rule.
#include <map>
#include <string>
#include <vector>

class SweepTally {
public:
    // `outcome` says what the point led to; `cause` which operation was refused first.
    void Add(int point, const std::string& outcome, const std::string& cause, const std::vector<std::string>& problems);

    int points() const { return m_points; }
    // "point N (cause): problems", one for each point that broke a rule.
    const std::vector<std::string>& broken() const { return m_broken; }
    // Each outcome with the number of points that led to it and a few of their causes.
    std::string Report(const std::string& title) const;

private:
    struct Outcome {
        int points = 0;
        std::vector<std::string> causes;
    };
    int m_points = 0;
    std::map<std::string, Outcome> m_outcomes;
    std::vector<std::string> m_broken;
};
