#pragma once

// Whole calculations per second (three texts to the IBAN, as the Calculate command asks for
// it) against the floor: a bare MOD 97-10 loop over the same BBANs. Single thread, pinned to
// one processor.
struct EngineThroughput {
    double calculationsPerSecond = 0;
    double bareLoopPerSecond = 0;
};

EngineThroughput measureEngineThroughput(double secondsEach);
