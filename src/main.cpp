#include "shell/ui/app_main.h"

int main(int argc, char *argv[]) {
    return runBalizor(argc, argv);
}
