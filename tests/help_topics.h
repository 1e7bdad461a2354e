#pragma once
// Every help topic number the program asks for: the properties window's pages and controls, the
// tools menu, the questions of the processing run and of mailer detection, and the tips.
#include <set>
#include <sstream>
#include <string>

#include "base/list_files.h"
#include "shell/props_layout.h"
#include "utilities/Tips.h"

namespace v5::testing {

// The run's question about encrypting to a list, and detection's choice and "no mailer" dialogs.
inline constexpr int kQuestionTopics[] = {9000, 9002, 9003};

// tipsFile: the text of the delivered "tips.dat".
inline std::set<int> ProgramHelpTopics(const std::string& tipsFile) {
    std::set<int> topics(std::begin(kQuestionTopics), std::end(kQuestionTopics));
    topics.insert(kToolsHelpTopic);
    for (int page = 0; page < kPageCount; ++page) topics.insert(kHelpTopicBase + page);
    for (const ControlSpec& c : PropsControls())
        if (c.helpTopic) topics.insert(c.helpTopic);
    for (const std::string& line : SplitLines(tipsFile))
        if (const int topic = TipHelpTopic(SplitTipLine(line).helpText)) topics.insert(topic);
    return topics;
}

}  // namespace v5::testing
