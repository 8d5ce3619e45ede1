#include "gui/ReportRun.h"
#include "gui/WindowRun.h"

#include <cstring>

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--report") == 0)
        return runReport(argc, argv);
    return runWindow(argc, argv);
}
