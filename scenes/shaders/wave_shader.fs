varying mediump vec3 colour;

void main(void)
{
    /* Every float carries its own precision: a default precision statement
       would not survive desktop GL, where the qualifiers are defined away. */
    gl_FragColor = vec4(min(colour, vec3(1.0)), 1.0);
}
