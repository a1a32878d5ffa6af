#include "tests/sweep/sweep_tally.h"

#include "tests/sweep/sweep_checks.h"

namespace {

constexpr std::size_t kCausesShown = 3;

}  // namespace

void SweepTally::Add(int point, const std::string& outcome, const std::string& cause,
                     const std::vector<std::string>& problems) {
    ++m_points;
    Outcome& tally = m_outcomes[outcome];
    ++tally.points;
    if (tally.causes.size() < kCausesShown) tally.causes.push_back(std::to_string(point) + " " + cause);
    if (!problems.empty()) m_broken.push_back("point " + std::to_string(point) + " (" + cause + "):" + Joined(problems));
}

std::string SweepTally::Report(const std::string& title) const {
    std::string text = title + ": " + std::to_string(m_points) + " failure points, " +
                       std::to_string(m_points - static_cast<int>(m_broken.size())) + " holding\n";
    for (const auto& [outcome, tally] : m_outcomes) {
        text += "  " + std::to_string(tally.points) + " x " + outcome + "\n     e.g.";
        for (const std::string& cause : tally.causes) text += " [" + cause + "]";
        text += "\n";
    }
    return text;
}
