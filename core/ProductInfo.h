#pragma once
// The texts with which the program presents itself.
inline constexpr char ProductName[] = "Pictarine Screen Saver";
inline constexpr char VersionText[] = "Version 1.1";
inline constexpr char CopyrightText[] = "Copyright \u00A9 2026 Quellbrook. All rights reserved.";
inline constexpr char WebAddress[] = "http://www.pictarine.example/";
inline constexpr char EMailAddress[] = "pictarine@quellbrook.example";
// The widest the product name may be drawn, in pixels.
inline constexpr int ProductNameWidth = 273;
