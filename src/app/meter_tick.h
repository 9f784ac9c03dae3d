// The meter timer's decisions for one tick, apart from drawing them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class MeterStep {
    EndOfTrack,  // stopped or ended: meter off, "stopped" texts, displays blanked
    NoAnswer,    // the state query faulted: "stopped" texts, the meter goes on
    Wait,        // paused or any other state: nothing more this tick
    Show,        // playing: clock, texts and scope
};
MeterStep meter_step(int32_t state);

// What a playing tick changed: the time text, information lines 2 and 3.
enum MeterTextChange : unsigned { kTimeChanged = 1, kLinesChanged = 2 };

// A playing tick's texts: the time text and information lines 2 and 3
// (console lines 1 and 2, padded to three lines). The MeterTextChange bits of
// what differs, 0 when nothing does.
unsigned update_meter_texts(std::vector<std::string>& console, std::string& time_text,
                            std::string new_time, const std::string& info2,
                            const std::string& info3);
