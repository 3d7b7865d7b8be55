#pragma once

// Names that go into the data folder and the machine-wide configuration lookup.
inline constexpr const char *MakerShortName = "Brightwell";
inline constexpr const char *MakerFullName = "Brightwell Software";
inline constexpr const char *ProductName = "Skyloom";
