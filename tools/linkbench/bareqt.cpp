// SPDX-License-Identifier: GPL-3.0-or-later
// The least a Qt command-line program does: make its application object, print a line and
// end. Built with the project's flags, it is what rw830kt-cli's own start is judged
// against by `rw830kt_linkbench cpu`.

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    std::fputs("a bare Qt program\n", stdout);
    return 0;
}
