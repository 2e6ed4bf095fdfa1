"""The common end of the end-to-end scripts: parse the options, give up with
exit code 77 (skipped) when the Wine runner cannot start this architecture's
programs, and run the script's unittest cases with the options left over."""
import argparse
import subprocess
import sys
import unittest


def run(parser):
    """Adds --wine (the runner's command line), parses, and hands the options
    to the tests through the returned namespace before running them."""
    parser.add_argument("--wine", nargs=argparse.REMAINDER)
    args, rest = parser.parse_known_args()
    return args, lambda: _run_tests(args, rest)


def _run_tests(args, rest):
    if args.wine:
        # Also makes the Wine prefix before the first timed run.
        probe = subprocess.run(args.wine + ["cmd.exe", "/c", "exit 0"], capture_output=True)
        if probe.returncode == 77:
            print(probe.stderr.decode(errors="replace").strip())
            sys.exit(77)
    unittest.main(argv=[sys.argv[0], *rest], verbosity=2)
