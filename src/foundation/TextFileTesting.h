#pragma once
// Lets tests make every save fail as a full disk would, everywhere at once.

namespace TextFile::Testing {

// From now on the n-th and later writes of file contents fail with errno err (0 stops it).
void failWritesFrom(int n, int err);

} // namespace TextFile::Testing
