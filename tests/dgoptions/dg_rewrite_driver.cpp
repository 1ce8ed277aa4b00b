// Rewrites one trial's header and nothing else, for the crash test to kill
// at random moments: dg_rewrite_driver <data directory> <trial name> <X reversal 0|1|2>
// It writes one byte to its output when the rewrite begins.

#include "dgoptions/DgFileNames.h"
#include "dgoptions/DgRewrite.h"

#include <QString>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 4)
        return 2;
    const kadrix::DgFileNames names = kadrix::dgFileNames(
        QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]), QString());
    const kadrix::HeaderChoices choices{QString::fromLatin1(argv[3]).toInt(), 0};
    std::fputc('r', stdout);
    std::fflush(stdout);
    const kadrix::RewriteOutcome outcome = kadrix::rewriteDgFile(names.paths, choices);
    return outcome.result == kadrix::RewriteOutcome::Result::Saved ? 0 : 1;
}
