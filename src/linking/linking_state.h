#pragma once

#include <string>

#include "data/data_access.h"

namespace velmora {

// What this run knows of the linking exchange it takes part in.
struct LinkingState {
    std::string sender;     // the program whose start message was taken over; empty when none
    std::string startInfo;  // the start information taken over with it
    std::string endInfo;    // what this program replies with, or received from a program it started
    bool StartTaken() const { return !sender.empty(); }
};

// Reads the start-up staff code of the operating environment row again, so a
// sign-in made by another program of the suite meanwhile is carried along.
void RefreshStartStaffCode(DataAccess& access);

// A value compared or stored as exact text: apostrophes doubled, blanks kept.
std::string ExactLiteral(const std::string& text);

}  // namespace velmora
