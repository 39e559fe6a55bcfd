// vk7316r: the command-line tool for scripting and fleet work.
#include "Nastroj.h"

int main(int argc, char** argv)
{
    return vk::cli::Spust(argc, argv);
}
