#pragma once
// One figure a tally gives: a number, or the state that stands in its place. The
// tallies hand out numbers only; the texts of windows, sheets and CSV files are
// made from them by the text layer (tally/TallyText.h and the *Text files beside
// each tally), which alone decides how a number and each state are written.

struct TallyNumber {
    enum class State : unsigned char {
        Value,      // a number
        Absent,     // no score entered for the pupil (欠)
        NotEntered, // a score never typed yet (未入力), left out like an absence (未)
        NoValue,    // nothing to reckon it from: no entered score, no percentage, no rank
        NotInTest,  // a column beyond the test's own, or a viewpoint no column measures
    };
    State state = State::NoValue;
    double value = 0;

    static constexpr TallyNumber of(double number) { return {State::Value, number}; }
    static constexpr TallyNumber absent() { return {State::Absent, 0}; }
    static constexpr TallyNumber notEntered() { return {State::NotEntered, 0}; }
    static constexpr TallyNumber none() { return {State::NoValue, 0}; }
    static constexpr TallyNumber notInTest() { return {State::NotInTest, 0}; }
    // A stored figure that uses a negative number for "none" (a rank, an average).
    static constexpr TallyNumber orNone(double number) { return number < 0 ? none() : of(number); }

    constexpr bool hasValue() const { return state == State::Value; }
    constexpr bool operator==(const TallyNumber& other) const
    {
        return state == other.state && (state != State::Value || value == other.value);
    }
    constexpr bool operator!=(const TallyNumber& other) const { return !(*this == other); }
};
