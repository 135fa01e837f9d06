// The texts Windows gives for the error codes the raw reads answer with.
#include "platform/rawcd.h"

std::string SystemErrorText(std::uint32_t error) {
    switch (error) {
    case win32error::InvalidFunction: return "Incorrect function.";
    case win32error::FileNotFound: return "The system cannot find the file specified.";
    case win32error::AccessDenied: return "Access is denied.";
    case win32error::NotReady: return "The device is not ready.";
    case win32error::Crc: return "Data error (cyclic redundancy check).";
    case win32error::BadLength: return "The program issued a command but the command length is incorrect.";
    case win32error::InvalidParameter: return "The parameter is incorrect.";
    case win32error::InsufficientBuffer: return "The data area passed to a system call is too small.";
    default: return "Error " + std::to_string(error) + ".";
    }
}
