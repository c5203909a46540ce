#pragma once

#include "platform/text/Errors.h"

// A picture the decoder cannot read: "JPEG error #%d" with the decoder's message code.
class EJPEG final : public EError {
public:
    explicit EJPEG(int code);
    int Code() const { return code_; }

private:
    int code_;
};
