#pragma once
// The application title: window captions, message boxes and the settings' program name.

inline constexpr const char* kAppTitle = "Tesselaphon Editor";
inline constexpr const char* kCompanyName = "Ostrova";
