#include "app/meter_tick.h"

#include "plugins/vl_decoder.h"

MeterStep meter_step(int32_t state) {
    switch (state) {
        case STATE_STOPPED:
        case STATE_ENDED:
            return MeterStep::EndOfTrack;
        case STATE_PLAYING:
            return MeterStep::Show;
        case -1:  // the guarded query's fault value
            return MeterStep::NoAnswer;
        default:
            return MeterStep::Wait;
    }
}

unsigned update_meter_texts(std::vector<std::string>& console, std::string& time_text,
                            std::string new_time, const std::string& info2,
                            const std::string& info3) {
    unsigned changed = 0;
    if (new_time != time_text) {
        time_text = std::move(new_time);
        changed |= kTimeChanged;
    }
    while (console.size() < 3) console.emplace_back();
    const std::string* lines[2] = {&info2, &info3};
    for (size_t i = 1; i <= 2; ++i) {
        std::string line = "> " + *lines[i - 1];
        if (line != console[i]) {
            console[i] = std::move(line);
            changed |= kLinesChanged;
        }
    }
    return changed;
}
