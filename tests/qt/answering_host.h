#pragma once
// Stands in for the user at the window's message boxes: answers queued by the test are
// given without showing a box; without one the window's own box is shown. Every box is
// recorded.
#include <deque>
#include <string>
#include <vector>

#include "host/forwarding_dialog_host.h"

class AnsweringHost : public plat::ForwardingDialogHost {
public:
    struct MessageRecord {
        std::string text;
        unsigned flags;
        int answer;
        bool shown;  // false when a queued answer stood in for the user
    };

    using plat::ForwardingDialogHost::ForwardingDialogHost;

    // Answers (plat::kId*) for the next message boxes, used in order.
    void Queue(const std::vector<int>& answers) { m_answers.insert(m_answers.end(), answers.begin(), answers.end()); }
    const std::vector<MessageRecord>& Messages() const { return m_messages; }

    int MessageBox(const std::string& text, unsigned flags) override {
        if (!m_answers.empty()) {
            const int answer = m_answers.front();
            m_answers.pop_front();
            m_messages.push_back({text, flags, answer, false});
            return answer;
        }
        const int answer = inner().MessageBox(text, flags);
        m_messages.push_back({text, flags, answer, true});
        return answer;
    }

private:
    std::deque<int> m_answers;
    std::vector<MessageRecord> m_messages;
};
