#include "platform/jpeg/EJPEG.h"

#include "platform/text/Format.h"

EJPEG::EJPEG(int code) : EError(Format("JPEG error #%d", code)), code_(code)
{
}
