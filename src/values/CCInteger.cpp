#include "CCInteger.h"

namespace cocos2d {

CCInteger* CCInteger::create(int value)
{
    auto* integer = new CCInteger(value);
    integer->autorelease();
    return integer;
}

} // namespace cocos2d
