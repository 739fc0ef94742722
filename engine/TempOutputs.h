// The temporary output files the program has made and not yet removed, so that a
// program ended by a signal (the terminal closed, Ctrl+C, a pipe reader gone, kill)
// does not leave runs of hundreds of megabytes behind in the temporary folder. A file
// the user saved under a name of their own is never in the list.
#pragma once

#include <string>

namespace vexa::TempOutputs {

// Adds path to the files removed when the program is ended by a signal. Up to a fixed
// number of files are held; beyond them a file is not removed on such an end.
void Track(const std::string &path);
// Takes path out again: it has been removed, or it is the user's file now.
void Untrack(const std::string &path);
// From now on SIGHUP, SIGINT, SIGTERM and SIGPIPE remove the tracked files and then end
// the program as they would have. A signal the program was told to ignore stays ignored.
void RemoveOnTermination();

}  // namespace vexa::TempOutputs
