// The floor of any program's start under Wine: a console program that starts and exits,
// linked as statically as remedor-cli is, and nothing else.
int main()
{
    return 0;
}
