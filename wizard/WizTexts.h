#pragma once
// The wizard's own texts, as its pages show them.

namespace wizard::text {

inline constexpr const char* kCaption = "Kavelin Settings Wizard";
inline constexpr const char* kAboutTitle = "About SetupGuide";
inline constexpr const char* kAboutVersion = "SetupGuide Version 1.0";
inline constexpr const char* kAboutCopyright = "Copyright (C) Kavelin team";
inline constexpr const char* kLeaveWizard = "Are You Sure You Want To Leave The Wizard?";
inline constexpr const char* kLeaveWizaed = "Are You Sure You Want To Leave The Wizaed?";
inline constexpr const char* kKeepsOwnFiles = "This Directory Holds Kavelin's Own Settings And Cannot Be Cleaned";
inline constexpr const char* kMakeSelection =
    "Please make a selection to continue, or cancel to leave the wizard";

}  // namespace wizard::text
