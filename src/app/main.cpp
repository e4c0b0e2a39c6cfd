// The vintorel executable.
#include "app/app_run.h"

int main(int argc, char** argv) { return vintorel::run_application(argc, argv); }
