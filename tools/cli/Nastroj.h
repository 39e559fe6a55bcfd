#pragma once
// The command-line tool vk7316r (Nastroj = tool): entry point of the command
// logic, kept apart from main() so that the logic is a library.
namespace vk::cli {

// Exit codes (Konec = end): success, the module or the link failed (the
// status text went to stderr), the command line or a local input file was
// wrong (a short usage text or the file's fault went to stderr), and for
// diff: the module and the profile differ (Rozdil = difference). A run
// stopped by SIGINT, SIGTERM or SIGHUP ends with 128 + the signal's number
// instead.
enum class TKonec : int { Uspech = 0, ChybaModulu = 1, ChybaPouziti = 2, Rozdil = 3 };

// Runs one command line. Never throws.
int Spust(int argc, char** argv);

}  // namespace vk::cli
