attribute highp vec3 vertex;
attribute mediump vec3 normal;
uniform highp mat4 matrix;
uniform highp vec4 data;
varying mediump vec3 colour;

void main(void)
{
    /* A sine travelling across the grid: data.x moves its phase, data.y
       scales its height. */
    highp vec2 direction = vec2(0.6, 0.4);
    highp float wave = dot(direction, vertex.xz) * 1.5 + data.x;
    highp float height = data.y * sin(wave);
    highp float slope = data.y * cos(wave) * 1.5;
    mediump vec3 bent = normalize(normalize(normal) - vec3(direction.x * slope, 0.0, direction.y * slope));
    mediump float light = max(dot(bent, normalize(vec3(0.3, 1.0, 0.5))), 0.0);
    colour = vec3(0.05, 0.2, 0.45) + light * vec3(0.2, 0.5, 0.5) + max(height, 0.0) * vec3(0.3, 0.3, 0.2);
    gl_Position = matrix * vec4(vertex.x, height, vertex.z, 1.0);
}
