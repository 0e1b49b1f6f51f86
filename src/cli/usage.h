// The text serquin-cli prints for --help and --version.
#pragma once

extern const char kUsageText[];
extern const char kVersionText[];
