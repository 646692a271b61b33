#pragma once

namespace platform {

// The engine's error codes. The numbers are fixed: the program's German texts are indexed by them.
enum ErrorCode : int {
    noError = 0,
    other = 1,                  // a result that is not a number, calls nested too deep, ...
    brackets = 2,               // brackets that do not match
    undefinedVariable = 3,      // error data: the name
    factorialTooLarge = 7,      // n! with n above 170
    doubleQuote = 8,            // a double quote in the text
    syntax = 9,                 // any other syntax error; a call of an empty body
    capacity = 10,              // more definitions than the engine holds
    undefinedFunction = 11,     // error data: the name
    argumentCount = 12,         // a known function with the wrong number of arguments
    factorialArgument = 13,     // n! with n negative or not whole
    divisionByZero = 14,        // "/"
    integerDivisionByZero = 15, // "\", "div", "mod"
    power = 16,                 // negative base with a broken exponent, 0 to a negative power
    // The domain errors of the functions.
    sqrtDomain = 17,
    log2Domain = 18,
    log10Domain = 19,
    lnDomain = 20,
    asinDomain = 21,
    acosDomain = 22,
    secDomain = 23,
    cscDomain = 24,
    cotDomain = 25,
    cothDomain = 26,
    cschDomain = 27,
    acoshDomain = 28,
    atanhDomain = 29,
    acothDomain = 30,
    asechDomain = 31,
    acschDomain = 32,
};

} // namespace platform
