#pragma once

class PropertyReader;
class PropertyWriter;

// An object that loads itself from and saves itself to a property store.
class Persistable
{
public:
    virtual ~Persistable() {}
    virtual void load(const PropertyReader& reader) = 0;
    virtual void save(PropertyWriter& writer) = 0;
};
