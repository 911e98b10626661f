#include "app/driver.h"

int main(int argc, char** argv) { return runPrecheck(argc, argv); }
