vs.1.1
mov	oT0, v2
m4x4	r2, v0, c0
mov	oPos, r2
mov	oD1.rgb, c12
dp3	r6.x, v1.xyz, c6.xyz
dp3	r6.y, v1.xyz, c8.xyz
dp3	r6.z, v1.xyz, c10.xyz
max	r6.xyz, c4.x, r6.xyz
mul	r0.xyz, r6.xxx, c7
mad	r0.xyz, r6.yyy, c9, r0.xyz
mad	r0.xyz, r6.zzz, c11, r0.xyz
add	oD0.rgb,  r0.xyz, c5
mov	oD0.a, c4.y
