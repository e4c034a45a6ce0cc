// mox: the configuration program of the interface box.

#include "MoxApp.h"

int main(int argc, char** argv) {
    return MoxRun(argc, argv);
}
