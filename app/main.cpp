#include "ruraravo.h"

int main(int argc, char **argv)
{
    return RurAravo::main(argc, argv);
}
