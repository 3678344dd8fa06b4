#include "ui/app/startup.h"

int main(int argc, char **argv)
{
    return tavomi::runApplication(argc, argv);
}
