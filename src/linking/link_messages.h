#pragma once

#include <string>

#include "linking/linking_state.h"

namespace velmora {

// Start and reply messages of the linking table. Both messages of one exchange
// carry the starter as sender and the started program as receiver; "00" is
// the start, "99" the reply.
void SendStartMessage(DataAccess& access, const std::string& sender, const std::string& receiver,
                      const std::string& startInfo);

// At start-up: takes over a start message addressed to this program whose
// start information is the trimmed command line and which was written at or
// after the limit ("yyyymmdd hhnnss"). True when one was taken.
bool TakeStartMessage(DataAccess& access, LinkingState& state, const std::string& commandLine,
                      const std::string& limit);

// At the end of the run, only when a start message was taken over.
void SendReply(DataAccess& access, const LinkingState& state);

// One round of a starter's wait: the reply's start information (empty while
// none has arrived) and its end information.
std::string TakeReply(DataAccess& access, const std::string& receiver, const std::string& startInfo,
                      const std::string& limit, std::string& endInfo);

}  // namespace velmora
