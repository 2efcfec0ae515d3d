#pragma once
// The one folder a test process writes its files into: made on first use
// under the system's temporary folder ($TMPDIR), removed with everything in
// it when the process ends, so that no run leaves files behind.
#include <string>

// The folder, ending without a slash.
const std::string& test_dir();

// `name` inside test_dir().
std::string test_file(const std::string& name);
