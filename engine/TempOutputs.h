// The temporary output files the program has made and not yet removed, so that a
// program ended by a signal (the terminal closed, Ctrl+C, a pipe reader gone, kill)
// does not leave runs of hundreds of megabytes behind in the temporary folder. A file
// the user saved under a name of their own is never in the list.
//
// The list is also kept on disk, in a small marker file of this process in the
// temporary folder, so that the files of a program ended by a signal that cannot be
// caught (SIGKILL) or that stopped for another reason are removed by the next start.
#pragma once

#include <string>

namespace vexa::TempOutputs {

// Creates a new, empty output file for the trace in folder (which ends with "/"):
// exclusively, so that no other run of this or another process ever writes the same
// file, and readable by the user alone (the outputs hold calling party numbers). The
// file is tracked. Returns its path, or an empty text when it cannot be made (errno
// tells why).
std::string CreateOutput(const std::string &folder, const std::string &tracePath);

// Adds path to the files removed when the program is ended by a signal. Up to a fixed
// number of files (256) are held; beyond them a file is not removed on such an end.
void Track(const std::string &path);
// Takes path out again: it has been removed, or it is the user's file now.
void Untrack(const std::string &path);
// From now on SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGPIPE, SIGUSR1 and SIGUSR2 remove the
// tracked files and then end the program as they would have. A signal the program was
// told to ignore stays ignored. A file grown past the size limit of the process makes
// its write fail (and be reported) instead of ending the program.
void RemoveOnTermination();
// Removes every tracked file now: the program is ending on a failure of its own.
void RemoveTracked();
// Removes the files that earlier processes of this user made in folder and left behind
// when they ended without removing them (their process is gone). Files of processes
// still running, of other users, and files the user kept are left alone.
void RemoveLeftBehind(const std::string &folder);

// The marker file that lists the tracked files of the process pid in folder.
std::string MarkerPath(const std::string &folder, long pid);

}  // namespace vexa::TempOutputs
