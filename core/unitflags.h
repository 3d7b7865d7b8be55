#pragma once

// The user's unit and time choices.
struct UnitFlags
{
    bool fahrenheit = false;
    bool mph = false;
    bool inchesPerHour = false;
    bool utc = false;

    friend bool operator==(const UnitFlags &, const UnitFlags &) = default;
};
