// Creates the thumbnail handler through COM, as the shell does, and checks the bitmap it
// returns for sample documents. Built into the 32-bit driver and the 64-bit client.
#pragma once
#include <string>
#include <vector>

// Problems found; empty when the handler works. COM must be initialised.
// `sample_dir` is a writable folder for the two sample documents.
std::vector<std::wstring> check_thumbnail_handler(const std::wstring& sample_dir);
