#pragma once
// mirukana-report's exit status, the contract that batch scripts test
// (as they test diff's or grep's):
//
//   0  every project was read and every verdict is O.K (or there is none)
//   1  at least one verdict is NO; with --sizes, the project cannot be checked
//   2  trouble: a file that cannot be read or written, or wrong usage; a
//      one-line message on standard error names the file or the problem
//
// Every command of mirukana-report returns one of these.

namespace mk::cli {

constexpr int kExitOk = 0;
constexpr int kExitNo = 1;
constexpr int kExitTrouble = 2;

// The status of several results together: trouble outweighs a NO, a NO
// outweighs O.K.
constexpr int CombineExitStatus(int a, int b) { return a > b ? a : b; }

}  // namespace mk::cli
